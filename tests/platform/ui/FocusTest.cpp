#include "platform/ui/Focus.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// A form with five controls in tab order a, b(disabled), c, label(no tab stop), d(hidden), e.
struct Form
{
    QWidget form;
    QLineEdit* a;
    QLineEdit* b;
    QCheckBox* c;
    QLabel* label;
    QLineEdit* d;
    QLineEdit* e;

    Form()
    {
        auto* lay = new QVBoxLayout(&form);
        a = new QLineEdit(&form);
        b = new QLineEdit(&form);
        c = new QCheckBox(QStringLiteral("c"), &form);
        label = new QLabel(QStringLiteral("l"), &form);
        d = new QLineEdit(&form);
        e = new QLineEdit(&form);
        for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                           static_cast<QWidget*>(c), static_cast<QWidget*>(label),
                           static_cast<QWidget*>(d), static_cast<QWidget*>(e)})
            lay->addWidget(w);
        b->setEnabled(false);
        d->hide();
        c->setFocusPolicy(Qt::StrongFocus);
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        a->setFocus();
    }
};

} // namespace

TEST(Focus, NextControlSkipsDisabledHiddenAndNonTabStopsAndWraps)
{
    Form f;
    EXPECT_EQ(qx::findNextControl(f.a, true), f.c);
    EXPECT_EQ(qx::findNextControl(f.c, true), f.e);
    EXPECT_EQ(qx::findNextControl(f.e, true), f.a); // wraps to the first
    EXPECT_EQ(qx::findNextControl(f.a, false), f.e); // wraps to the last
    EXPECT_EQ(qx::findNextControl(f.e, false), f.c);

    EXPECT_EQ(qx::selectNextControl(f.a, true), f.c);
    EXPECT_EQ(QApplication::focusWidget(), f.c);
    EXPECT_EQ(qx::selectNextControl(f.c, false), f.a);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
}

TEST(Focus, TabOrderIsFollowedNotCreationOrder)
{
    Form f;
    QWidget::setTabOrder(f.e, f.c); // a, e, c ... now
    QWidget::setTabOrder(f.a, f.e);
    EXPECT_EQ(qx::findNextControl(f.a, true), f.e);
    EXPECT_EQ(qx::findNextControl(f.e, true), f.c);
}

TEST(Focus, StaysInsideAMarkedFormRoot)
{
    QWidget window;
    auto* lay = new QVBoxLayout(&window);
    auto* outside = new QLineEdit(&window);
    auto* inner = new QWidget(&window);
    auto* innerLay = new QVBoxLayout(inner);
    auto* x = new QLineEdit(inner);
    auto* y = new QLineEdit(inner);
    innerLay->addWidget(x);
    innerLay->addWidget(y);
    lay->addWidget(outside);
    lay->addWidget(inner);
    qx::markFormRoot(inner);
    window.show();
    EXPECT_EQ(qx::formOf(x), inner);
    EXPECT_EQ(qx::findNextControl(x, true), y);
    EXPECT_EQ(qx::findNextControl(y, true), x); // wraps inside the inner form
}

TEST(Focus, NoOtherTabStopGivesNothing)
{
    QWidget form;
    auto* only = new QLineEdit(&form);
    form.show();
    EXPECT_EQ(qx::selectNextControl(only, true), nullptr);
}

TEST(Focus, EnterAndExitCountOnlyMovesBetweenControlsOfTheForm)
{
    QWidget form;
    auto* lay = new QVBoxLayout(&form);
    auto* a = new QLineEdit(&form);
    auto* b = new QLineEdit(&form);
    lay->addWidget(a);
    lay->addWidget(b);
    QStringList log;

    // Feed the notifiers from an event filter, as a control feeds them from its handlers.
    struct Filter : QObject
    {
        std::map<QObject*, qx::FocusNotifier*> notifiers;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            auto it = notifiers.find(o);
            if (it != notifiers.end()) {
                if (e->type() == QEvent::FocusIn)
                    it->second->focusIn(static_cast<QFocusEvent*>(e));
                else if (e->type() == QEvent::FocusOut)
                    it->second->focusOut(static_cast<QFocusEvent*>(e));
            }
            return false;
        }
    } filter;
    qx::FocusNotifier na(a, [&] { log << "enter a"; }, [&] { log << "exit a"; });
    qx::FocusNotifier nb(b, [&] { log << "enter b"; }, [&] { log << "exit b"; });
    filter.notifiers[a] = &na;
    filter.notifiers[b] = &nb;
    a->installEventFilter(&filter);
    b->installEventFilter(&filter);

    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    a->setFocus();
    EXPECT_EQ(log, QStringList{"enter a"});

    // Another window takes the activation and gives it back: no notices.
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    otherEdit->setFocus();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(log, QStringList{"enter a"});

    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), b);
    EXPECT_EQ(log, (QStringList{"enter a", "exit a", "enter b"}));
    EXPECT_TRUE(nb.entered());
    EXPECT_FALSE(na.entered());
}
