// Connecting sinks through the source object in one call, with and without the source's reference.
#include "TestObjects.h"

#include <com/ConnectionAdvise.h>

#include <gtest/gtest.h>

using namespace tvsk::com;

TEST(ConnectionAdviseTest, CountedConnectionKeepsTheSinkAndDeliversEvents)
{
    ComPtr<ICounter> counter = NewCounter();
    ComPtr<RecordingSink> sink(new RecordingSink);
    DWORD cookie = 0;
    ASSERT_TRUE(AfxConnectionAdvise(counter.Get(), DIID_ICounterEvents, sink.Get(), TRUE, &cookie));
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(RefCount(sink.Get()), 2u);
    counter->put_Value(3);
    EXPECT_EQ(sink->events.size(), 1u);
    ASSERT_TRUE(AfxConnectionUnadvise(counter.Get(), DIID_ICounterEvents, sink.Get(), TRUE, cookie));
    EXPECT_EQ(RefCount(sink.Get()), 1u);
    counter->put_Value(4);
    EXPECT_EQ(sink->events.size(), 1u);
}

TEST(ConnectionAdviseTest, UncountedConnectionGivesTheReferenceBackBothWays)
{
    ComPtr<ICounter> counter = NewCounter();
    ComPtr<RecordingSink> sink(new RecordingSink);
    DWORD cookie = 0;
    ASSERT_TRUE(AfxConnectionAdvise(counter.Get(), DIID_ICounterEvents, sink.Get(), FALSE, &cookie));
    EXPECT_EQ(RefCount(sink.Get()), 1u);
    ASSERT_TRUE(AfxConnectionUnadvise(counter.Get(), DIID_ICounterEvents, sink.Get(), FALSE, cookie));
    EXPECT_EQ(RefCount(sink.Get()), 1u);
}

TEST(ConnectionAdviseTest, UnknownInterfaceNoContainerOrStaleCookieFail)
{
    ComPtr<ICounter> counter = NewCounter();
    ComPtr<RecordingSink> sink(new RecordingSink);
    DWORD cookie = 0;
    EXPECT_FALSE(AfxConnectionAdvise(counter.Get(), ICounter::Iid, sink.Get(), TRUE, &cookie));
    EXPECT_FALSE(AfxConnectionAdvise(sink.Get(), DIID_ICounterEvents, sink.Get(), TRUE, &cookie));
    EXPECT_FALSE(AfxConnectionAdvise(nullptr, DIID_ICounterEvents, sink.Get(), TRUE, &cookie));
    EXPECT_FALSE(AfxConnectionUnadvise(counter.Get(), DIID_ICounterEvents, sink.Get(), FALSE, 99));
    EXPECT_EQ(RefCount(sink.Get()), 1u);
}
