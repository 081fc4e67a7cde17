#pragma once
// Captions: the one place for the wide (UTF-16) form of a caption and for the "&" rule every
// captioned control follows. "&x" marks x as the accelerator (shown underlined, pressed with Alt or
// alone in a dialog), "&&" shows one "&", a "&" at the very end shows nothing. The first marked
// character is the accelerator.

#include <string>
#include <string_view>

namespace vcl {

// The caption as the control set holds it.
std::u16string WideCaption(std::string_view caption);

// The text shown, without the markers.
std::u16string StripAccelChars(std::u16string_view caption);
std::string StripAccelChars(std::string_view caption);

// The accelerator character as written (not case-folded), or 0 when the caption has none.
char32_t AcceleratorOf(std::u16string_view caption);
char32_t AcceleratorOf(std::string_view caption);

// Index in StripAccelChars(caption) of the accelerator's first UTF-16 unit, or -1.
int AcceleratorIndex(std::u16string_view caption);

// The typed character selects the caption: it is the accelerator, ignoring case.
bool IsAccel(char32_t key, std::u16string_view caption);
bool IsAccel(char32_t key, std::string_view caption);

}  // namespace vcl
