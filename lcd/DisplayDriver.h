#pragma once

#include <cstdint>
#include <string_view>

namespace dotvane::DisplayDriver {

// The display operations the rest of the program uses. Each reads LCD/Type
// when called and forwards to the T6963C (0) or the KS0108 (1) driver; any
// other type has no hardware display and does nothing.
void Open();
void Blank();
void Clear();
void SetTextPosition(int32_t column, int32_t row);
void WriteText(std::string_view text);
void SetPixel(int32_t x, int32_t y);
void ResetPixel(int32_t x, int32_t y);

// Takes the operations instead of the controllers while installed, so tests
// can record what the program sends to the display.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Open() = 0;
    virtual void Blank() = 0;
    virtual void Clear() = 0;
    virtual void SetTextPosition(int32_t column, int32_t row) = 0;
    virtual void WriteText(std::string_view text) = 0;
    virtual void SetPixel(int32_t x, int32_t y) = 0;
    virtual void ResetPixel(int32_t x, int32_t y) = 0;
};

// nullptr returns the operations to the controllers.
void Redirect(Sink* sink);

}  // namespace dotvane::DisplayDriver
