// Scope objects for the process-wide settings and bindings that tests change: each puts the
// setting back when it goes out of scope, also when a failed assertion or an exception leaves
// the test early.
//
//     const qx::test::ScopedToday today(QDate(2026, 3, 5));
//     const qx::test::ScopedBinding binding(&qx::editLookupBinding, &qx::setEditLookupBinding, {});
#pragma once

#include "platform/env/DialogService.h"
#include "platform/env/MissingBinding.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/TextHook.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

namespace qx::test {

// Fixes "today" for the scope; the machine's clock afterwards.
class ScopedToday
{
public:
    explicit ScopedToday(const QDate& day) { qx::setToday(day); }
    explicit ScopedToday(TDateTime moment) { qx::setToday(moment); }
    ~ScopedToday() { qx::clearToday(); }
    ScopedToday(const ScopedToday&) = delete;
    ScopedToday& operator=(const ScopedToday&) = delete;
};

// Points the program folder at folder for the scope; the executable's folder afterwards.
class ScopedProgramFolder
{
public:
    explicit ScopedProgramFolder(const QString& folder) { qx::setProgramFolder(folder); }
    ~ScopedProgramFolder() { qx::setProgramFolder(QString()); }
    ScopedProgramFolder(const ScopedProgramFolder&) = delete;
    ScopedProgramFolder& operator=(const ScopedProgramFolder&) = delete;
};

// Installs the text hook for the scope; none afterwards.
class ScopedTextHook
{
public:
    explicit ScopedTextHook(std::function<QString(const QString&)> hook)
    {
        qx::setTextHook(std::move(hook));
    }
    ~ScopedTextHook() { qx::setTextHook({}); }
    ScopedTextHook(const ScopedTextHook&) = delete;
    ScopedTextHook& operator=(const ScopedTextHook&) = delete;
};

// Sets a binding with a getter and a setter for the scope, and puts the earlier one back.
template <class T>
class ScopedBinding
{
public:
    ScopedBinding(const T& (*get)(), void (*set)(T), T value) : m_set(set), m_saved(get())
    {
        m_set(std::move(value));
    }
    ~ScopedBinding() { m_set(std::move(m_saved)); }
    ScopedBinding(const ScopedBinding&) = delete;
    ScopedBinding& operator=(const ScopedBinding&) = delete;

private:
    void (*m_set)(T);
    T m_saved;
};

// Installs another dialog service for the scope; a fresh scripted one (what the test main
// installs) afterwards.
class ScopedDialogService
{
public:
    explicit ScopedDialogService(std::unique_ptr<DialogService> service)
    {
        DialogService::install(std::move(service));
    }
    ~ScopedDialogService() { DialogService::install(std::make_unique<ScriptedDialogService>()); }
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;
};

// The test main's handler of a missing binding: the test fails, naming what was missing.
inline qx::MissingBindingHandler failOnMissingBinding()
{
    return [](QWidget*, const QString& what) {
        ADD_FAILURE() << "missing binding: " << what.toStdString();
    };
}

// Collects the missing bindings reported in the scope, for tests that cause one on purpose;
// afterwards a report fails the test again.
class ScopedMissingBindings
{
public:
    ScopedMissingBindings()
    {
        qx::setMissingBindingHandler(
            [this](QWidget*, const QString& what) { m_reported << what; });
    }
    ~ScopedMissingBindings() { qx::setMissingBindingHandler(failOnMissingBinding()); }
    ScopedMissingBindings(const ScopedMissingBindings&) = delete;
    ScopedMissingBindings& operator=(const ScopedMissingBindings&) = delete;

    const QStringList& reported() const { return m_reported; }

private:
    QStringList m_reported;
};

} // namespace qx::test
