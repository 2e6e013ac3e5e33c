#include "TestObjects.h"

#include <gtest/gtest.h>

using namespace tvsk::com;

class ConnectionPointTest : public testing::Test
{
protected:
    void SetUp() override
    {
        auto container = counter.As<IConnectionPointContainer>();
        ASSERT_TRUE(container);
        ASSERT_EQ(container->FindConnectionPoint(DIID_ICounterEvents, point.Receive()), S_OK);
    }

    ComPtr<ICounter> counter = NewCounter();
    ComPtr<IConnectionPoint> point;
};

TEST_F(ConnectionPointTest, ConnectedSinksReceiveEventsWithArgumentsInOrder)
{
    ComPtr<RecordingSink> first(new RecordingSink), second(new RecordingSink);
    DWORD c1 = 0, c2 = 0;
    ASSERT_EQ(point->Advise(first.Get(), &c1), S_OK);
    ASSERT_EQ(point->Advise(second.Get(), &c2), S_OK);
    EXPECT_NE(c1, 0u);
    EXPECT_NE(c1, c2);

    counter->put_Value(5);
    ASSERT_EQ(first->events.size(), 1u);
    EXPECT_EQ(first->events[0].id, DISPID_CounterChanged);
    EXPECT_EQ(first->events[0].arguments, (std::vector<std::string>{"5", "put"}));
    EXPECT_EQ(second->events.size(), 1u);

    ASSERT_EQ(point->Unadvise(c1), S_OK);
    counter->put_Value(6);
    EXPECT_EQ(first->events.size(), 1u);
    EXPECT_EQ(second->events.size(), 2u);
    EXPECT_EQ(point->Unadvise(c1), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(c2), S_OK);
}

TEST_F(ConnectionPointTest, TheConnectionHoldsOneReferenceToTheSink)
{
    ComPtr<RecordingSink> sink(new RecordingSink);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
    EXPECT_EQ(RefCount(sink.Get()), 2u);
    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(RefCount(sink.Get()), 1u);
    DWORD next = 0;
    ASSERT_EQ(point->Advise(sink.Get(), &next), S_OK);
    EXPECT_NE(next, cookie) << "cookies are not reused";
    point->Unadvise(next);
}

TEST_F(ConnectionPointTest, WrongSinksAndUnknownEventInterfacesAreRefused)
{
    ComPtr<IConnectionPoint> none;
    auto container = counter.As<IConnectionPointContainer>();
    EXPECT_EQ(container->FindConnectionPoint(ICounter::Iid, none.Receive()), CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(none);

    // An object without IDispatch cannot receive events.
    ReportError(E_FAIL, IID_NULL, "test", "no sink");
    ComPtr<IErrorInfo> notASink;
    ASSERT_EQ(GetErrorInfo(0, notASink.Receive()), S_OK);
    DWORD cookie = 7;
    EXPECT_EQ(point->Advise(notASink.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);

    IID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_EQ(iid, DIID_ICounterEvents);
}

TEST_F(ConnectionPointTest, TheConnectionPointKeepsItsObjectAlive)
{
    const ULONG before = RefCount(counter.Get());
    ComPtr<IConnectionPoint> extra = point;
    EXPECT_EQ(RefCount(counter.Get()), before + 1);
}
