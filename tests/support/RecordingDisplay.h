#pragma once

#include "lcd/NoDisplay.h"

#include <string>
#include <vector>

namespace dotvane::test {

// A display without hardware that records the driver operations in order,
// one readable line each ("Clear", "Pos 0,3", "Text 'abc'"). Pictures it
// takes as no hardware display does: not at all.
class RecordingDisplay : public NoDisplay {
public:
    std::optional<PortOpenFailure> Open() override
    {
        calls.push_back("Open");
        return openError;
    }
    void Blank() override { calls.push_back("Blank"); }
    void Clear(bool keepBitmap) override { calls.push_back(keepBitmap ? "Clear keeping the bitmap" : "Clear"); }
    void SetTextPosition(int32_t column, int32_t row) override
    {
        calls.push_back("Pos " + std::to_string(column) + "," + std::to_string(row));
    }
    void WriteText(std::string_view text) override { calls.push_back("Text '" + std::string(text) + "'"); }
    bool BlanksErase() const override { return blanksErase; }
    void ClearCells(int32_t column, int32_t row, int32_t count) override
    {
        calls.push_back("Clear " + std::to_string(count) + " at " + std::to_string(column) + "," + std::to_string(row));
    }
    void SetPixel(int32_t x, int32_t y) override
    {
        calls.push_back("Set " + std::to_string(x) + "," + std::to_string(y));
    }
    void ResetPixel(int32_t x, int32_t y) override
    {
        calls.push_back("Reset " + std::to_string(x) + "," + std::to_string(y));
    }

    PortHealth Health() override { return health; }

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }

    std::vector<std::string> calls;
    // Whether a written blank clears its cell, as on the T6963C.
    bool blanksErase = true;
    // What Open reports.
    std::optional<PortOpenFailure> openError;
    // How the port's device answers.
    PortHealth health;
};

}  // namespace dotvane::test
