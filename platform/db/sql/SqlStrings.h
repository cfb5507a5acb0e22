// The SQL text of a query as a list of lines, used the way forms have always filled it:
//   Query->SQL().Clear(); Query->SQL().Add("select * from tStock where Code = :Code");
// The owner hears every change (to close the query and re-read its parameters).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace qx {

class SqlStrings
{
public:
    int Count() const { return int(m_lines.size()); }
    QString Strings(int index) const { return m_lines.at(index); }
    QString operator[](int index) const { return m_lines.at(index); }
    void Clear();
    void Add(const QString& line);
    void Append(const QString& line) { Add(line); }
    // The lines joined by line ends; setting it splits at line ends.
    QString Text() const;
    void SetText(const QString& text);
    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines);

    std::function<void()> OnChange;

private:
    void changed()
    {
        if (OnChange)
            OnChange();
    }
    QStringList m_lines;
};

} // namespace qx
