// Drag source data: cached formats become MIME data under their registered names.
#include <ui/Ui.h>

#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

TEST(DataSourceTest, CachedFormatsBecomeMimeDataAndReplaceEarlierBytes)
{
    const CLIPFORMAT rows = RegisterClipboardFormat("DataSourceTestRows");
    COleDataSource source;
    source.CacheData(rows, "old", 3);
    source.CacheData(rows, "a\0b", 3);
    source.CacheData(CF_TEXT, "text", 4);
    EXPECT_TRUE(source.IsDataCached(rows));

    const std::unique_ptr<QMimeData> mime(source.CreateMimeData());
    EXPECT_EQ(mime->data(QString::fromUtf8(ClipboardFormatMimeType(rows).GetString())),
              QByteArray("a\0b", 3));
    EXPECT_EQ(mime->data("text/plain"), QByteArray("text"));

    COleDataObject offered(mime.get());
    CByteArray bytes;
    ASSERT_TRUE(offered.GetData(rows, bytes));
    EXPECT_EQ(bytes.GetSize(), 3);

    source.Empty();
    EXPECT_FALSE(source.IsDataCached(rows));
}
