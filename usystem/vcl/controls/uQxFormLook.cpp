#include "usystem/vcl/controls/uQxFormLook.h"

#include "platform/ui/Components.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QWidget>

#include <map>

namespace {

std::multimap<int, TFormLookRule>& rules()
{
    static std::multimap<int, TFormLookRule> r = [] {
        std::multimap<int, TFormLookRule> built;
        built.emplace(flrLabel, [](QObject* c) {
            if (auto* l = qobject_cast<TQxLabel*>(c)) {
                l->SetCaption(qx::localizeText(l->Caption()));
                return true;
            }
            if (auto* l = qobject_cast<QLabel*>(c)) {
                l->setText(qx::localizeText(l->text()));
                return true;
            }
            return false;
        });
        built.emplace(flrMenuItem, [](QObject* c) {
            if (auto* a = qobject_cast<QAction*>(c)) {
                a->setText(qx::localizeText(a->text()));
                return true;
            }
            return false;
        });
        built.emplace(flrCaptionControl, [](QObject* c) {
            if (auto* b = qobject_cast<TQxCheckBox*>(c)) {
                b->SetCaption(qx::localizeText(b->Caption()));
                return true;
            }
            if (auto* p = qobject_cast<TQxPanel*>(c)) {
                p->SetCaption(qx::localizeText(p->Caption()));
                return true;
            }
            if (auto* b = qobject_cast<TQxCustomButton*>(c)) {
                b->SetCaption(qx::localizeText(b->Caption()));
                return true;
            }
            if (auto* b = qobject_cast<QAbstractButton*>(c)) {
                // Platform check boxes and bitmap buttons (TQxBitBtn among them).
                b->setText(qx::localizeText(b->text()));
                return true;
            }
            return false;
        });
        built.emplace(flrPageControl, [](QObject* c) {
            if (auto* t = qobject_cast<QTabWidget*>(c)) {
                for (int i = 0; i < t->count(); ++i)
                    t->setTabText(i, qx::localizeText(t->tabText(i)));
                return true;
            }
            return false;
        });
        return built;
    }();
    return r;
}

} // namespace

void RegisterFormLookRule(int Rank, TFormLookRule Rule)
{
    if (Rule)
        rules().emplace(Rank, std::move(Rule));
}

void ApplyFormLook(QWidget* Form)
{
    if (!Form)
        return;
    Form->setWindowTitle(qx::localizeText(Form->windowTitle()));
    for (QObject* component : qx::components(Form)) {
        for (const auto& [rank, rule] : rules()) {
            Q_UNUSED(rank);
            if (rule(component))
                break;
        }
    }
}
