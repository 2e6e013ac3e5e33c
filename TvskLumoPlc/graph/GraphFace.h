// What graph objects ask of their graph manager: grid step, text metrics, colours and checks.
#pragma once

#include <framework/CString.h>
#include <framework/Geometry.h>
#include <framework/WinTypes.h>

class CGraphConst;

// Display colour roles of the manager's settings.
enum GraphColor
{
    SelectionColor,
    ObjColor,
    SelTextColor,
    TextColor,
    BkgndGrid,
    BkgndColor,
    GridColor,
    ErrorColor,
    CommentColor,
    ConnectColor,
    SelConnectColor,
    TriggerColor,
    ActiveColor,
    GraphColorCount
};

constexpr COLORREF FixedGreen = RGB(0, 200, 0);

// Measures texts in the graph's font; the window library measures real fonts, tests a fixed face.
class CGraphTextMetrics
{
public:
    virtual ~CGraphTextMetrics() = default;
    // Size in tenths of a point and face name; false when no font can be made.
    virtual bool SetFont(int size, const char* face) = 0;
    virtual bool HasFont() const = 0;
    virtual int GetTextHeight() const = 0;
    // Extent of a text in the normal or the bold (weight 900) font.
    virtual CSize GetTextExtent(const char* text, bool bold) const = 0;
};

// Every character 6 x 12 pixels, so the grid step is 12.
class CFixedTextMetrics : public CGraphTextMetrics
{
public:
    static constexpr int CharWidth = 6;
    static constexpr int CharHeight = 12;

    bool SetFont(int, const char*) override { return true; }
    bool HasFont() const override { return true; }
    int GetTextHeight() const override { return CharHeight; }
    CSize GetTextExtent(const char* text, bool) const override
    {
        return {CharWidth * CString(text).GetLength(), CharHeight};
    }
};

class CGraphFace
{
public:
    virtual ~CGraphFace() = default;
    virtual int GetStepX() const = 0;
    virtual int GetStepY() const = 0;
    virtual bool HasFont() const = 0;
    virtual CSize GetTextExtent(const char* text, bool bold) const = 0;
    virtual COLORREF GetColor(GraphColor role) const = 0;
    // The owner's check of a constant's new value; false refuses it.
    virtual bool CheckConstant(CGraphConst* constant, const char* value) = 0;
};
