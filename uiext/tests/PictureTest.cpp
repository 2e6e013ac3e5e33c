// Pictures: loading, failures reported in boxes and as 0, drawing and saving the own bytes.
#include <uiext/Picture.h>

#include <ui/MessageBox.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class BoxSink : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString& caption, UINT) override
    {
        texts.push_back(text);
        captions.push_back(caption);
        return IDOK;
    }
    std::vector<CString> texts;
    std::vector<CString> captions;
};

class PictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = AfxSetMessageBoxSink(&sink);
        ASSERT_TRUE(dir.isValid());
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(QColor(0, 128, 255));
        pngPath = dir.filePath("picture.png");
        ASSERT_TRUE(image.save(pngPath, "PNG"));
    }
    void TearDown() override { AfxSetMessageBoxSink(previous); }
    QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    BoxSink sink;
    CMessageBoxSink* previous = nullptr;
    QTemporaryDir dir;
    QString pngPath;
};

TEST_F(PictureTest, LoadsAFileAndDrawsItScaledIntoARectangle)
{
    CPicture picture;
    ASSERT_TRUE(picture.Load(CString(pngPath.toUtf8().constData())));
    EXPECT_EQ(picture.m_Width, 6);
    EXPECT_EQ(picture.m_Height, 4);
    EXPECT_EQ(picture.m_Weight, FileBytes(pngPath).size());

    CBitmap canvas;
    canvas.CreateBitmap(20, 20);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&canvas);
    dc.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
    EXPECT_TRUE(picture.Show(&dc, CRect(2, 2, 14, 10)));
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
    EXPECT_EQ(FromQColor(canvas.GetImage().pixelColor(8, 6)), RGB(0, 128, 255));
    EXPECT_EQ(FromQColor(canvas.GetImage().pixelColor(16, 16)), RGB(255, 255, 255));
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(PictureTest, BytesThatAreNoImageAnswerZero)
{
    CPicture picture;
    const BYTE garbage[] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(picture.LoadPictureData(garbage, sizeof garbage));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(picture.m_Width, 0);
    CDC dc;
    EXPECT_FALSE(picture.Show(&dc, CRect(0, 0, 1, 1)));
}

TEST_F(PictureTest, SaveWritesThePicturesOwnBytes)
{
    CPicture picture;
    ASSERT_TRUE(picture.Load(CString(pngPath.toUtf8().constData())));
    const QString copy = dir.filePath("copy.png");
    EXPECT_TRUE(picture.SaveAsBitmap(CString(copy.toUtf8().constData())));
    EXPECT_EQ(FileBytes(copy), FileBytes(pngPath));
    CPicture empty;
    EXPECT_FALSE(empty.SaveAsBitmap(CString(dir.filePath("none.png").toUtf8().constData())));
}

TEST_F(PictureTest, MissingFileShowsTheFileErrorAndFreesTheOldPicture)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    CPictureWnd wnd;
    ASSERT_TRUE(wnd.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &parent, 5));
    EXPECT_NE(wnd.GetStyle() & SS_CENTERIMAGE, 0u);
    ASSERT_TRUE(wnd.Load(CString(pngPath.toUtf8().constData())));
    EXPECT_EQ(wnd.GetWidth(), 6);
    EXPECT_FALSE(wnd.Load(CString(dir.filePath("missing.png").toUtf8().constData())));
    EXPECT_EQ(wnd.GetWidth(), 0);
    ASSERT_EQ(sink.captions.size(), 1u);
    EXPECT_EQ(sink.captions[0], CString("CPicture Error"));
    EXPECT_FALSE(sink.texts[0].IsEmpty());
}

TEST_F(PictureTest, MissingResourceIsReportedAsNotFound)
{
    CPicture picture;
    EXPECT_FALSE(picture.Load(45678, "JPG"));
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], CString("FindResource() Failed\t"));
}

} // namespace
