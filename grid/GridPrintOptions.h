#pragma once
// How a block of cells is to be printed. The grid stores these through SetPrintOption;
// the page layout and the printing itself read them.

namespace GridPrintOption {
enum : int {
    TopHeadings = 1,  // print the top heading rows above every page
    SideHeadings = 2, // print the side heading columns left of every page
    LeftMargin = 3,   // millimetres
    TopMargin = 4,
    RightMargin = 5,
    BottomMargin = 6,
    Outline = 10, // frame around each page's block of cells
};
}

struct CGridPrintOptions {
    int printTopHeadings = 0;
    int printSideHeadings = 0;
    int leftMargin = 25;
    int topMargin = 25;
    int rightMargin = 25;
    int bottomMargin = 25;
    int outline = 1;
    // Printed column widths and row heights relative to the screen.
    double horizontalScale = 1.18;
    double verticalScale = 1.0;

    // Stores options 1 to 6 and 10 (the outline as value != 0) and ignores other numbers.
    void Set(int option, int value) {
        if (int* field = Field(option))
            *field = option == GridPrintOption::Outline ? (value != 0 ? 1 : 0) : value;
    }
    // 1 for an unknown option.
    int Get(int option, int* value) const {
        const int* field = const_cast<CGridPrintOptions*>(this)->Field(option);
        if (!field)
            return 1;
        if (value)
            *value = *field;
        return 0;
    }

private:
    // Options 1 to 6 stand in this order; the outline is 10.
    int* Field(int option) {
        int CGridPrintOptions::*const fields[] = {
            &CGridPrintOptions::printTopHeadings, &CGridPrintOptions::printSideHeadings,
            &CGridPrintOptions::leftMargin,       &CGridPrintOptions::topMargin,
            &CGridPrintOptions::rightMargin,      &CGridPrintOptions::bottomMargin};
        if (option == GridPrintOption::Outline)
            return &outline;
        if (option < GridPrintOption::TopHeadings || option > GridPrintOption::BottomMargin)
            return nullptr;
        return &(this->*fields[option - GridPrintOption::TopHeadings]);
    }
};
