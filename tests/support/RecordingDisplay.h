#pragma once

#include "lcd/DisplayDriver.h"

#include <string>
#include <vector>

namespace dotvane::test {

// Records the display operations in order, one readable line each
// ("Clear", "Pos 0,3", "Text 'abc'"), while it is installed.
class RecordingDisplay : public DisplayDriver::Sink {
public:
    RecordingDisplay() { DisplayDriver::Redirect(this); }
    ~RecordingDisplay() override { DisplayDriver::Redirect(nullptr); }

    void Open() override { calls.push_back("Open"); }
    void Blank() override { calls.push_back("Blank"); }
    void Clear() override { calls.push_back("Clear"); }
    void SetTextPosition(int32_t column, int32_t row) override
    {
        calls.push_back("Pos " + std::to_string(column) + "," + std::to_string(row));
    }
    void WriteText(std::string_view text) override { calls.push_back("Text '" + std::string(text) + "'"); }
    void SetPixel(int32_t x, int32_t y) override
    {
        calls.push_back("Set " + std::to_string(x) + "," + std::to_string(y));
    }
    void ResetPixel(int32_t x, int32_t y) override
    {
        calls.push_back("Reset " + std::to_string(x) + "," + std::to_string(y));
    }

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }

    std::vector<std::string> calls;
};

}  // namespace dotvane::test
