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
        switch (option) {
        case GridPrintOption::TopHeadings:
            printTopHeadings = value;
            break;
        case GridPrintOption::SideHeadings:
            printSideHeadings = value;
            break;
        case GridPrintOption::LeftMargin:
            leftMargin = value;
            break;
        case GridPrintOption::TopMargin:
            topMargin = value;
            break;
        case GridPrintOption::RightMargin:
            rightMargin = value;
            break;
        case GridPrintOption::BottomMargin:
            bottomMargin = value;
            break;
        case GridPrintOption::Outline:
            outline = value != 0 ? 1 : 0;
            break;
        default:
            break;
        }
    }
    // 1 for an unknown option.
    int Get(int option, int* value) const {
        int v = 0;
        switch (option) {
        case GridPrintOption::TopHeadings:
            v = printTopHeadings;
            break;
        case GridPrintOption::SideHeadings:
            v = printSideHeadings;
            break;
        case GridPrintOption::LeftMargin:
            v = leftMargin;
            break;
        case GridPrintOption::TopMargin:
            v = topMargin;
            break;
        case GridPrintOption::RightMargin:
            v = rightMargin;
            break;
        case GridPrintOption::BottomMargin:
            v = bottomMargin;
            break;
        case GridPrintOption::Outline:
            v = outline;
            break;
        default:
            return 1;
        }
        if (value)
            *value = v;
        return 0;
    }
};
