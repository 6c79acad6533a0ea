#include "platform/Latin1Text.h"

#include <algorithm>
#include <iterator>

namespace dotvane::platform {
namespace {

// What the decoder returns for a malformed piece of UTF-8.
constexpr char32_t kMalformed = 0xFFFFFFFFu;

// Decodes the character that starts at text[i] and moves i past it. A
// malformed piece gives kMalformed and moves i past its longest part that
// could still have begun a character, at least one byte, so that each such
// piece becomes one replacement and decoding resumes at the byte that broke
// it.
char32_t DecodeOne(std::string_view text, size_t& i)
{
    const auto byteAt = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byteAt(i++);
    if (lead < 0x80) return lead;
    int following;
    char32_t code;
    // The range of the second byte; it is narrower than 80 … BF after the
    // leads that would otherwise allow overlong forms, surrogates or code
    // points beyond U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        // C0 and C1 only begin overlong forms; F5 … FF and the continuation
        // bytes 80 … BF never begin a character.
        return kMalformed;
    }
    for (int k = 0; k < following; ++k) {
        if (i >= text.size()) return kMalformed;
        const unsigned char next = byteAt(i);
        if (next < low || next > high) return kMalformed;
        code = (code << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
        ++i;
    }
    return code;
}

// Runs of characters that each stand for one ASCII letter, the letter at
// the character's offset in the run; "?" marks one that has none, or one
// that kSpellings spells with more than one letter.
struct LetterRun {
    char32_t first;
    std::string_view letters;
};

constexpr LetterRun kLetterRuns[] = {
    // Latin Extended-A, all of it.
    {0x0100, "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlLlLlNnNnNn?NnOoOoOo??RrRrRrSsSsSsSsTtTt"
             "TtUuUuUuUuUuUuWwYyYZzZzZzs"},
    // Latin Extended-B: the letters with an accent or a stroke on a base
    // letter (pinyin, Vietnamese, Romanian, Livonian and others).
    {0x0192, "f"},
    {0x01A0, "Oo"},
    {0x01AF, "Uu"},
    {0x01CD, "AaIiOoUuUuUuUuUu?AaAa??GgGgKkOoOo??j???Gg??NnAa??Oo"},
    {0x0200, "AaAaEeEeIiIiOoOoRrRrUuUuSsTt"},
    {0x021E, "Hh"},
    {0x0226, "AaEeOoOoOoOoYy"},
    // Latin Extended Additional: letters with dots, lines and hooks, and
    // the Vietnamese letters with two accents.
    {0x1E00, "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMmMmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSs"
             "SsSsTtTtTtTtUuUuUuUuUuVvVvWwWwWwWwWwXxXxYyZzZzZzhtwyas"},
    {0x1EA0, "AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEeEeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy"},
};

// Characters with an ASCII spelling of their own, in code point order.
struct Spelling {
    char32_t code;
    std::string_view ascii;
};

constexpr Spelling kSpellings[] = {
    {0x0132, "IJ"},   {0x0133, "ij"},  {0x0149, "'n"},  {0x0152, "OE"},  {0x0153, "oe"},  {0x01C4, "DZ"},
    {0x01C5, "Dz"},   {0x01C6, "dz"},  {0x01C7, "LJ"},  {0x01C8, "Lj"},  {0x01C9, "lj"},  {0x01CA, "NJ"},
    {0x01CB, "Nj"},   {0x01CC, "nj"},  {0x01E2, "AE"},  {0x01E3, "ae"},  {0x01F1, "DZ"},  {0x01F2, "Dz"},
    {0x01F3, "dz"},   {0x01FC, "AE"},  {0x01FD, "ae"},  {0x02BC, "'"},   {0x02C6, "^"},   {0x02DC, "~"},
    {0x1E9E, "SS"},   {0x2010, "-"},   {0x2011, "-"},   {0x2012, "-"},   {0x2013, "-"},   {0x2014, "-"},
    {0x2015, "-"},    {0x2018, "'"},   {0x2019, "'"},   {0x201A, "'"},   {0x201B, "'"},   {0x201C, "\""},
    {0x201D, "\""},   {0x201E, "\""},  {0x201F, "\""},  {0x2022, "*"},   {0x2024, "."},   {0x2025, ".."},
    {0x2026, "..."},  {0x2032, "'"},   {0x2033, "\""},  {0x2039, "<"},   {0x203A, ">"},   {0x2043, "-"},
    {0x2044, "/"},    {0x20AC, "EUR"}, {0x2116, "No"},  {0x2122, "TM"},  {0x2212, "-"},   {0x2215, "/"},
    {0xFB00, "ff"},   {0xFB01, "fi"},  {0xFB02, "fl"},  {0xFB03, "ffi"}, {0xFB04, "ffl"}, {0xFB05, "st"},
    {0xFB06, "st"},
};
static_assert(std::is_sorted(std::begin(kSpellings), std::end(kSpellings),
                             [](const Spelling& a, const Spelling& b) { return a.code < b.code; }));

bool IsSpace(char32_t c) { return (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000; }

// Characters that take no room: zero-width spaces and joiners, direction
// marks and embeddings, invisible operators, the byte-order mark and the
// variation selectors.
bool IsInvisible(char32_t c)
{
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFE00 && c <= 0xFE0F) ||
           (c >= 0xE0100 && c <= 0xE01EF);
}

bool IsCombiningMark(char32_t c) { return c >= 0x0300 && c <= 0x036F; }

// The Latin-1 letters that a base letter and a combining accent make.
struct Composition {
    char32_t mark;
    std::string_view bases;
    std::string_view letters;
};

constexpr Composition kCompositions[] = {
    {0x0300, "AEIOUaeiou", "\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2\xF9"},
    {0x0301, "AEIOUYaeiouy", "\xC1\xC9\xCD\xD3\xDA\xDD\xE1\xE9\xED\xF3\xFA\xFD"},
    {0x0302, "AEIOUaeiou", "\xC2\xCA\xCE\xD4\xDB\xE2\xEA\xEE\xF4\xFB"},
    {0x0303, "ANOano", "\xC3\xD1\xD5\xE3\xF1\xF5"},
    {0x0308, "AEIOUaeiouy", "\xC4\xCB\xCF\xD6\xDC\xE4\xEB\xEF\xF6\xFC\xFF"},
    {0x030A, "Aa", "\xC5\xE5"},
    {0x0327, "Cc", "\xC7\xE7"},
};

// Puts the accent on the last letter written when Latin-1 has that letter;
// otherwise the accent is dropped and the letter stands alone.
void Combine(std::string& out, char32_t mark)
{
    if (out.empty()) return;
    for (const Composition& composition : kCompositions) {
        if (composition.mark != mark) continue;
        const size_t at = composition.bases.find(out.back());
        if (at != std::string_view::npos) out.back() = composition.letters[at];
        return;
    }
}

// Writes the ASCII stand-in of a character outside Latin-1.
void AppendFallback(std::string& out, char32_t c)
{
    if (IsSpace(c)) {
        out += ' ';
        return;
    }
    if (IsInvisible(c)) return;
    if (IsCombiningMark(c)) {
        Combine(out, c);
        return;
    }
    // Full-width forms of the ASCII characters, as East Asian text uses them.
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out += static_cast<char>(c - 0xFEE0);
        return;
    }
    const auto spelling = std::lower_bound(std::begin(kSpellings), std::end(kSpellings), c,
                                           [](const Spelling& s, char32_t code) { return s.code < code; });
    if (spelling != std::end(kSpellings) && spelling->code == c) {
        out += spelling->ascii;
        return;
    }
    for (const LetterRun& run : kLetterRuns) {
        if (c >= run.first && c - run.first < run.letters.size()) {
            out += run.letters[c - run.first];
            return;
        }
    }
    out += '?';
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
        return lower(x) == lower(y);
    });
}

// Writes one decoded character as program text.
void AppendLatin1(std::string& out, char32_t c)
{
    if (c == kMalformed) out += '?';
    else if (c <= 0xFF) out += static_cast<char>(c);
    else AppendFallback(out, c);
}

}  // namespace

std::string Latin1FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) AppendLatin1(out, DecodeOne(utf8, i));
    return out;
}

std::string Latin1FromUtf16(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            // A high surrogate followed by a low one is one character.
            const bool paired = c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
            c = paired ? 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00) : kMalformed;
        }
        AppendLatin1(out, c);
    }
    return out;
}

std::string Utf8FromLatin1(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size())
        if (DecodeOne(bytes, i) == kMalformed) return false;
    return true;
}

std::string Latin1FromFileBytes(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) return Latin1FromUtf8(bytes);
    return std::string(bytes);
}

std::string Latin1FromCodeset(std::string_view text, std::string_view codeset)
{
    if (SameName(codeset, "UTF-8") || SameName(codeset, "UTF8")) return Latin1FromUtf8(text);
    for (std::string_view latin1 : {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1"})
        if (SameName(codeset, latin1)) return std::string(text);
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return out;
}

}  // namespace dotvane::platform
