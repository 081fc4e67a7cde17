#include "controls/foundation/Types.h"

namespace se {

using namespace vcl;

TSeBevelCut BevelKindCut(TSeBevelKind kind) {
    switch (kind) {
        case kbkSingle:
        case kbkTile:
        case kbkSoft: return kbvLowered;
        case kbkBorder: return kbvBorder;
        case kbkFlat: return kbvFlatBorder;
        case kbkNone: break;
    }
    return kbvNone;
}

TSeBevelColors BevelColors(TSeBevelCut cut) {
    switch (cut) {
        case kbvLowered: return {clBtnShadow, clBtnHighlight, cl3DDkShadow, clBtnFace};
        case kbvRaised: return {clBtnHighlight, cl3DDkShadow, clBtnShadow, clBtnShadow};
        case kbvBorder: return {cl3DDkShadow, cl3DDkShadow, clWindow, clWindow};
        case kbvFlatBorder: return {clBtnShadow, clBtnShadow, clBtnFace, clBtnFace};
        case kbvSpace:
        case kbvNone: break;
    }
    return {clBtnFace, clBtnFace, clBtnFace, clBtnFace};
}

}  // namespace se
