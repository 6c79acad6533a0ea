#pragma once

#include "config/Settings.h"

#include <cstddef>
#include <string>

namespace dotvane {

// What the expansion of one refresh may produce, so that a screen file of
// megabytes of variables costs no more than a display can show. A line keeps
// no more text than the display has cells, and all lines together expand no
// more than kVariableLimit variables. Expansion stops where a line reaches
// either cap; a template whose rest still held a variable was cut.
class ExpansionBudget {
public:
    // Far more than 16 rows can show the values of.
    static constexpr int kVariableLimit = 1000;

    // For the display of the settings' text rows and columns.
    explicit ExpansionBudget(const TMainSettings& settings);

    // The longest text a line keeps: the display's rows × columns, and at
    // least two rows, since a long line goes on at the next row even on a
    // display of one row.
    size_t LineLimit() const { return lineLimit_; }
    // Takes a variable from the budget; false once they are used up.
    bool TakeVariable();

    // Whether a template was cut with a variable left unexpanded.
    bool Cut() const { return cut_; }
    void SetCut() { cut_ = true; }

    // What the status line says of a screen that was cut.
    static std::string CutNotice(int screen);

private:
    size_t lineLimit_;
    int variablesLeft_ = kVariableLimit;
    bool cut_ = false;
};

}  // namespace dotvane
