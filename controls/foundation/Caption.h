#pragma once
// Captions of the control set: wide (UTF-16) text, with "&" marking the accelerator character.

#include <string>
#include <string_view>

namespace se {

// The character after a single "&" ("&&" stands for one "&"); 0 when the caption has none.
char32_t AcceleratorOf(std::u16string_view caption);
// key is the accelerator of caption, compared without regard to case.
bool IsAccelerator(char32_t key, std::u16string_view caption);

}  // namespace se
