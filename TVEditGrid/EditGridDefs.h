// Column descriptions and cell kinds of the editable grid.
#pragma once

// Kind of a cell: which editor opens and how its text is found.
enum EG_TYC : int
{
    EG_LIST = 0,        // drop-down list of the cell's value list
    EG_EDIT = 1,        // edit box
    EG_LIST_OPTION = 2, // list 16 pixels narrower with an option button at its right
    EG_EDIT_OPTION = 3, // edit box 16 pixels narrower with an option button at its right
    EG_OPTION = 4,      // option button only
    EG_PERCELL = 7      // each cell's kind comes from GetColType
};

// One column as the owner describes it.
struct EG_COLUMN
{
    int width;
    int numChar;        // character limit of the edit box
    int readOnly;       // nonzero: never opens an editor, skipped by the keyboard
    int numericOnly;    // nonzero: the edit box takes digits, "+", "-", ".", "E" and "e" only
    int type;           // an EG_TYC
    int headerStringId; // 0: the title is headerText; else asked from GetHeaderS, then the string table
    const char* headerText;
};
