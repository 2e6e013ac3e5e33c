// The editing view of a source document: 10-point "Courier", tab size 4, the wheel's line count,
// plain text only; prints only with a printer object.
#pragma once

#include "CrystalEditView.h"
#include "SourceDocument.h"

// Lays out and prints a source text page by page (the instruction-list printer is one).
class CSourcePrinter
{
public:
    virtual ~CSourcePrinter() = default;
    virtual int GetPageCount(CDC* dc, CCrystalTextBuffer& buffer) = 0;
    virtual void PrintPage(CDC* dc, CCrystalTextBuffer& buffer, int page) = 0;
};

class CSourceView : public CCrystalEditView
{
    DECLARE_DYNCREATE(CSourceView)

public:
    CSourceView();

    CSourceDocument* GetDocument() const;
    CCrystalTextBuffer* LocateTextBuffer() override;
    UINT GetWheelLines() const noexcept { return m_nWheelLines; }
    void SetPrinter(CSourcePrinter* printer) noexcept { m_pPrinter = printer; }
    CSourcePrinter* GetPrinter() const noexcept { return m_pPrinter; }

    // Printing goes through the printer object; without one nothing is printed.
    BOOL OnFilePrint() override;
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    // The last print had a printer chosen and printed nothing (none installed, a file that
    // cannot be written).
    bool PrintFailed() const noexcept { return m_bPrintFailed; }
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;

    UINT m_nWheelLines = 3;
    CSourcePrinter* m_pPrinter = nullptr;

private:
    bool m_bPrinterChosen = false;
    bool m_bPrintFailed = false;
};
