// An image loaded from a file or resource and drawn on a device context; a static control showing one.
#pragma once

#include <ui/Controls.h>
#include <ui/Dc.h>

#include <memory>
#include <vector>

class CPicture
{
public:
    CPicture() = default;
    virtual ~CPicture();

    BOOL Load(UINT resourceId, const char* resourceType);
    BOOL Load(const CString& path);
    // 1 when the bytes hold an image in a format the toolkit reads, else 0.
    BOOL LoadPictureData(const BYTE* data, size_t size);
    BOOL Show(CDC* dc, CRect rect);
    BOOL Show(CDC* dc, CPoint position, CPoint extraSize, int xFactor, int yFactor);
    BOOL ShowBitmapResource(CDC* dc, UINT bitmapId, CPoint position);
    BOOL UpdateSizeOnDC(CDC* dc);
    // Writes the picture's own bytes, in the format it was loaded from.
    BOOL SaveAsBitmap(const CString& path);
    void FreePictureData();

    bool IsLoaded() const noexcept { return m_pPict != nullptr; }
    LONG m_Height = 0;
    LONG m_Weight = 0; // bytes of the loaded data
    LONG m_Width = 0;

private:
    std::unique_ptr<CBitmap> m_pPict;
    std::vector<BYTE> m_data;
};

class CPictureWnd : public CStatic
{
public:
    // 1 and a full repaint when the picture loaded, else 0.
    BOOL Load(const CString& path);
    BOOL Load(UINT resourceId, const char* resourceType);
    LONG GetWidth() const { return m_picture.m_Width; }
    LONG GetHeight() const { return m_picture.m_Height; }

protected:
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnPaint() override;

private:
    CPicture m_picture;
};
