#include <framework/Exceptions.h>
#include <framework/Object.h>

#include <gtest/gtest.h>

namespace
{

class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_SERIAL(CCircle)
};
IMPLEMENT_SERIAL(CCircle, CShape, 1)

} // namespace

TEST(CObjectTest, RuntimeClassKnowsItsBases)
{
    CCircle c;
    EXPECT_TRUE(c.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(c.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ(c.GetRuntimeClass()->m_lpszClassName, "CCircle");
    EXPECT_TRUE(c.IsSerializable());
    EXPECT_FALSE(CShape().IsSerializable());
}

TEST(CObjectTest, CreatableClassesAreFoundByName)
{
    CObject* o = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CCircle)));
    delete o;
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("Nothing"), nullptr);
}

TEST(CExceptionTest, SharedMemoryExceptionSurvivesDelete)
{
    for (int i = 0; i < 2; ++i)
    {
        try
        {
            AfxThrowMemoryException();
        }
        catch (CMemoryException* e)
        {
            char text[64];
            EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
            e->Delete();
        }
    }
}
