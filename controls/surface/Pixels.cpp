#include "controls/surface/Pixels.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace se {
namespace {

TsePixel PackedBlendPixel(TsePixel top, TsePixel under) {
    const uint32_t a = AlphaOf(top);
    TsePixel result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t t = (top >> shift) & 0xFF, u = (under >> shift) & 0xFF;
        result |= ((u * (256 - a) + t * a) >> 8) << shift;
    }
    return result;
}

TsePixel PlainBlendPixel(TsePixel top, TsePixel under) {
    const uint32_t a = AlphaOf(top);
    if (a == 255) return top;
    if (a == 0) return under;
    TsePixel result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t t = (top >> shift) & 0xFF, u = (under >> shift) & 0xFF;
        result |= ((t * a + u * (255 - a)) >> 8) << shift;
    }
    return result;
}

void CopyRow(const TsePixel* source, TsePixel* destination, int count) {
    if (count > 0) std::memmove(destination, source, static_cast<size_t>(count) * sizeof(TsePixel));
}

void KeyRow(const TsePixel* source, TsePixel* destination, int count) {
    for (int i = 0; i < count; ++i) {
        if (!IsKeyPixel(source[i])) destination[i] = source[i] | 0xFF000000u;
    }
}

void PlainBlendRow(const TsePixel* source, TsePixel* destination, int count) {
    for (int i = 0; i < count; ++i) {
        const TsePixel s = source[i];
        const uint32_t a = AlphaOf(s);
        if (a == 0) continue;
        destination[i] = a == 255 ? s : PlainBlendPixel(s, destination[i]);
    }
}

// The kernels are forced inline: as calls they halve the speed of the row loops.
// Four pixels at a time in 16-bit lanes: (under << 8) + (top − under) × α, shifted right by 8.
// The sum wraps in 16 bits but its true value lies in 0..65280, so the result is exact. α 0
// leaves the destination as it was; α 255 is copied, which the formula alone would not give.
[[gnu::always_inline]] inline __m128i BlendHalf(__m128i top, __m128i under) {
    __m128i alpha = _mm_shufflelo_epi16(top, 0xFF);
    alpha = _mm_shufflehi_epi16(alpha, 0xFF);
    const __m128i product = _mm_mullo_epi16(_mm_sub_epi16(top, under), alpha);
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(under, 8), product), 8);
}

[[gnu::always_inline]] inline __m128i BlendFour(__m128i top, __m128i under) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i low = BlendHalf(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(under, zero));
    const __m128i high = BlendHalf(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(under, zero));
    const __m128i blended = _mm_packus_epi16(low, high);
    const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(top, alphaMask), alphaMask);
    return _mm_or_si128(_mm_and_si128(opaque, top), _mm_andnot_si128(opaque, blended));
}

void PackedBlendRow(const TsePixel* source, TsePixel* destination, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 4));
        const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
        const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), BlendFour(s0, d0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i + 4), BlendFour(s1, d1));
    }
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), BlendFour(s, d));
    }
    for (; i < count; ++i) {
        const TsePixel s = source[i];
        const uint32_t a = AlphaOf(s);
        if (a == 0) continue;
        destination[i] = a == 255 ? s : PackedBlendPixel(s, destination[i]);
    }
}

// The same arithmetic eight pixels at a time, for processors with 256-bit integer registers. Blue
// and red (and, shifted down, green and alpha) share 32-bit lanes, so no shuffles are needed.
[[gnu::always_inline]] inline __attribute__((target("avx2"))) __m256i BlendEight(__m256i top, __m256i under) {
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i highBytes = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i alpha32 = _mm256_srli_epi32(top, 24);
    const __m256i alpha = _mm256_or_si256(alpha32, _mm256_slli_epi32(alpha32, 16));
    const __m256i topBr = _mm256_and_si256(top, lowBytes), underBr = _mm256_and_si256(under, lowBytes);
    const __m256i topAg = _mm256_srli_epi16(top, 8), underAg = _mm256_srli_epi16(under, 8);
    const __m256i br = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_slli_epi16(underBr, 8), _mm256_mullo_epi16(_mm256_sub_epi16(topBr, underBr), alpha)), 8);
    const __m256i ag = _mm256_and_si256(
        _mm256_add_epi16(_mm256_and_si256(under, highBytes), _mm256_mullo_epi16(_mm256_sub_epi16(topAg, underAg), alpha)),
        highBytes);
    const __m256i opaque = _mm256_cmpeq_epi32(alpha32, _mm256_set1_epi32(255));
    return _mm256_blendv_epi8(_mm256_or_si256(br, ag), top, opaque);
}

__attribute__((target("avx2"))) void WideBlendRow(const TsePixel* source, TsePixel* destination, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(destination + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i), BlendEight(s, d));
    }
    // Clean upper register halves before 128-bit code runs again; left dirty, they slow every
    // later SSE instruction of the process down.
    _mm256_zeroupper();
    PackedBlendRow(source + i, destination + i, count - i);
}

const PixelRoutines kPacked{"packed (SSE2)", PackedBlendPixel, CopyRow, KeyRow, PackedBlendRow};
const PixelRoutines kWidePacked{"packed (AVX2)", PackedBlendPixel, CopyRow, KeyRow, WideBlendRow};
const PixelRoutines kPlain{"plain", PlainBlendPixel, CopyRow, KeyRow, PlainBlendRow};

uint8_t Clamp(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

int RoundHalfEven(float value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

const PixelRoutines& PackedSse2Routines() { return kPacked; }
const PixelRoutines* PackedAvx2Routines() { return __builtin_cpu_supports("avx2") ? &kWidePacked : nullptr; }
const PixelRoutines& PackedRoutines() {
    const PixelRoutines* wide = PackedAvx2Routines();
    return wide != nullptr ? *wide : kPacked;
}
const PixelRoutines& PlainRoutines() { return kPlain; }

const PixelRoutines& Routines() {
    static const PixelRoutines& chosen = __builtin_cpu_supports("sse2") ? PackedRoutines() : kPlain;
    return chosen;
}

TsePixel ColorToPixel(vcl::TColor color) { return vcl::RgbToPixel(vcl::ColorToRGB(color)); }

TsePixel MakePixel(int red, int green, int blue, int alpha) {
    return (static_cast<uint32_t>(alpha & 0xFF) << 24) | (uint32_t{Clamp(red)} << 16) | (uint32_t{Clamp(green)} << 8) |
           Clamp(blue);
}

vcl::TColor PixelToColor(TsePixel pixel) { return static_cast<vcl::TColor>(vcl::PixelToRgb(pixel)); }

void PixelToHsl(TsePixel pixel, float& hue, float& saturation, float& lightness) {
    const float r = ((pixel >> 16) & 0xFF) / 255.0f;
    const float g = ((pixel >> 8) & 0xFF) / 255.0f;
    const float b = (pixel & 0xFF) / 255.0f;
    const float high = std::max({r, g, b}), low = std::min({r, g, b});
    lightness = (high + low) / 2;
    if (high == low) {
        hue = 0;
        saturation = 0;
        return;
    }
    const float d = high - low;
    saturation = lightness >= 0.5f ? d / (2 - high - low) : d / (high + low);
    if (high == r) {
        hue = (g - b) / d;
    } else if (high == g) {
        hue = (b - r) / d + 2;
    } else {
        hue = (r - g) / d + 4;
    }
    hue /= 6;
    if (hue < 0) hue += 1;
}

TsePixel HslToPixel(float hue, float saturation, float lightness) {
    if (saturation == 0) {
        const int v = RoundHalfEven(lightness * 255);
        return MakePixel(v, v, v, 255);
    }
    const float q = lightness > 0.5f ? lightness + saturation - lightness * saturation : lightness * (1 + saturation);
    const float p = 2 * lightness - q;
    auto channel = [&](float t) {
        t -= std::floor(t);
        float value = p;
        if (6 * t < 1) {
            value = p + (q - p) * 6 * t;
        } else if (2 * t < 1) {
            value = q;
        } else if (3 * t < 2) {
            value = p + (q - p) * (2.0f / 3 - t) * 6;
        }
        return RoundHalfEven(value * 255);
    };
    return MakePixel(channel(hue + 1.0f / 3), channel(hue), channel(hue - 1.0f / 3), 255);
}

TsePixel ShiftHue(TsePixel pixel, int amount) {
    float h = 0, s = 0, l = 0;
    PixelToHsl(pixel, h, s, l);
    h += amount / 255.0f;
    h -= std::floor(h);
    return (HslToPixel(h, s, l) & 0x00FFFFFFu) | (pixel & 0xFF000000u);
}

}  // namespace se
