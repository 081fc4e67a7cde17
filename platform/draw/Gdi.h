#pragma once
// The whole device-context interface in one include.

#include "platform/draw/Blit.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/GdiState.h"
#include "platform/draw/GdiTypes.h"
#include "platform/draw/Shapes.h"
#include "platform/draw/Text.h"
