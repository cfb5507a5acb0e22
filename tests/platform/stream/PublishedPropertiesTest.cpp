#include <gtest/gtest.h>

#include <QObject>

#include "platform/stream/PublishedProperties.h"

namespace {

class PlainBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(int Options READ Options WRITE setOptions)
    Q_PROPERTY(int Height READ Height WRITE setHeight)

public:
    int Width() const { return 1; }
    void setWidth(int) {}
    int Options() const { return 2; }
    void setOptions(int) {}
    int Height() const { return 3; }
    void setHeight(int) {}
};

// Declares Options again with a wider type, as a data grid does over its grid base.
class RedeclaringChild : public PlainBase
{
    Q_OBJECT
    Q_PROPERTY(qint64 Options READ Options WRITE setOptions)
    Q_PROPERTY(int Depth READ Depth WRITE setDepth)

public:
    qint64 Options() const { return 20; }
    void setOptions(qint64) {}
    int Depth() const { return 4; }
    void setDepth(int) {}
};

} // namespace

TEST(PublishedProperties, RedeclaredPropertyIsListedOnceAtTheBasePosition)
{
    const QList<QMetaProperty> props = qx::publishedProperties(&RedeclaringChild::staticMetaObject);
    QStringList names;
    for (const QMetaProperty& p : props)
        names << QString::fromLatin1(p.name());
    EXPECT_EQ(names, (QStringList{"Width", "Options", "Height", "Depth"}));

    const QMetaProperty options = qx::findPublishedProperty(&RedeclaringChild::staticMetaObject, "options");
    ASSERT_TRUE(options.isValid());
    EXPECT_EQ(options.metaType(), QMetaType::fromType<qint64>());
    RedeclaringChild child;
    EXPECT_EQ(options.read(&child).toLongLong(), 20);
}

#include "PublishedPropertiesTest.moc"
