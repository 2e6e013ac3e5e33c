// Picture loading, drawing and saving; errors are shown in "CPicture Error" boxes.
#include "Picture.h"

#include <ui/MessageBox.h>
#include <ui/Resources.h>

#include <framework/File.h>

namespace
{

constexpr const char* kErrorTitle = "CPicture Error";

void ShowError(const char* text)
{
    AfxShowMessageBox(nullptr, text, kErrorTitle, MB_OK | MB_ICONSTOP);
}

void ShowFileError(const CFileException& error)
{
    char message[256] = {};
    error.GetErrorMessage(message, sizeof message);
    ShowError(message);
}

} // namespace

CPicture::~CPicture()
{
    FreePictureData();
}

void CPicture::FreePictureData()
{
    m_pPict.reset();
    m_data.clear();
    m_Height = 0;
    m_Weight = 0;
    m_Width = 0;
}

BOOL CPicture::Load(UINT resourceId, const char* resourceType)
{
    const ResourceData* resource = AfxFindResource(resourceId, resourceType);
    if (!resource)
    {
        ShowError("FindResource() Failed\t");
        return FALSE;
    }
    FreePictureData();
    const BOOL loaded = LoadPictureData(static_cast<const BYTE*>(resource->data), resource->size);
    m_Weight = static_cast<LONG>(resource->size);
    return loaded;
}

BOOL CPicture::Load(const CString& path)
{
    FreePictureData();
    if (!FitsForReading(path))
    {
        ShowError("The file is no picture or too large\t");
        return FALSE;
    }
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error))
    {
        ShowFileError(error);
        return FALSE;
    }
    std::vector<BYTE> bytes;
    try
    {
        bytes.resize(static_cast<size_t>(file.GetLength()));
        if (!bytes.empty() && file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
        {
            ShowError("Can not read the whole file\t");
            return FALSE;
        }
    }
    catch (CFileException* readError)
    {
        ShowFileError(*readError);
        readError->Delete();
        return FALSE;
    }
    const BOOL loaded = LoadPictureData(bytes.data(), bytes.size());
    m_Weight = static_cast<LONG>(bytes.size());
    return loaded;
}

BOOL CPicture::LoadPictureData(const BYTE* data, size_t size)
{
    m_pPict.reset();
    m_data.clear();
    auto picture = std::make_unique<CBitmap>();
    if (!picture->LoadFromData(data, size))
    {
        m_Width = 0;
        m_Height = 0;
        return FALSE;
    }
    m_data.assign(data, data + size);
    const CSize dimension = picture->GetBitmapDimension();
    m_Width = dimension.cx;
    m_Height = dimension.cy;
    m_pPict = std::move(picture);
    return TRUE;
}

BOOL CPicture::Show(CDC* dc, CRect rect)
{
    if (!dc || !m_pPict)
        return FALSE;
    if (!dc->DrawImage(rect.left, rect.top, rect.Width(), rect.Height(), m_pPict->GetImage()))
    {
        ShowError("Can not allocate enough memory\t");
        return FALSE;
    }
    return TRUE;
}

BOOL CPicture::Show(CDC* dc, CPoint position, CPoint extraSize, int xFactor, int yFactor)
{
    if (!dc || !m_pPict)
        return FALSE;
    const CSize natural = m_pPict->GetBitmapDimension();
    const int width = MulDiv(natural.cx, dc->GetDeviceCaps(LOGPIXELSX), 96) * xFactor + extraSize.x;
    const int height = MulDiv(natural.cy, dc->GetDeviceCaps(LOGPIXELSY), 96) * yFactor + extraSize.y;
    return Show(dc, CRect(position, CSize(width, height)));
}

BOOL CPicture::ShowBitmapResource(CDC* dc, UINT bitmapId, CPoint position)
{
    CBitmap bitmap;
    if (!dc || !bitmap.LoadBitmap(bitmapId))
        return FALSE;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&bitmap);
    const CSize size = bitmap.GetBitmapDimension();
    dc->BitBlt(position.x, position.y, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return TRUE;
}

BOOL CPicture::UpdateSizeOnDC(CDC* dc)
{
    if (!dc || !m_pPict)
    {
        m_Width = 0;
        m_Height = 0;
        return FALSE;
    }
    const CSize natural = m_pPict->GetBitmapDimension();
    const int dpiX = dc->IsPrinting() ? 96 : dc->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = dc->IsPrinting() ? 96 : dc->GetDeviceCaps(LOGPIXELSY);
    m_Width = MulDiv(natural.cx, dpiX, 96);
    m_Height = MulDiv(natural.cy, dpiY, 96);
    return TRUE;
}

BOOL CPicture::SaveAsBitmap(const CString& path)
{
    if (!m_pPict)
        return FALSE;
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error))
    {
        ShowFileError(error);
        return FALSE;
    }
    try
    {
        file.Write(m_data.data(), static_cast<UINT>(m_data.size()));
        file.Close();
    }
    catch (CFileException* writeError)
    {
        ShowFileError(*writeError);
        writeError->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CPictureWnd::Load(const CString& path)
{
    if (!m_picture.Load(path))
        return FALSE;
    Invalidate();
    return TRUE;
}

BOOL CPictureWnd::Load(UINT resourceId, const char* resourceType)
{
    if (!m_picture.Load(resourceId, resourceType))
        return FALSE;
    Invalidate();
    return TRUE;
}

void CPictureWnd::PreSubclassWindow()
{
    ModifyStyle(0, SS_CENTERIMAGE);
}

int CPictureWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CStatic::OnCreate(createStruct) == -1)
        return -1;
    ModifyStyle(0, SS_CENTERIMAGE);
    return 0;
}

void CPictureWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_picture.IsLoaded())
        m_picture.Show(&dc, CRect(0, 0, m_picture.m_Width, m_picture.m_Height));
}
