// Builds a report of the engine from a document template and the datasets offered to it.
//
// The master band runs once per record of its dataset (the report's DataSet); each detail
// band becomes a sub-detail under the report, running over its dataset for each master
// record, with its header and footer; group headers and footers group the records of their
// dataset's band; title, page header and footer and summary become the report's bands, and a
// child band follows the band listed before it. Every offered dataset is known to
// expressions by its offered name.
//
// Everything the template refers to is checked before a page is made: a dataset that is not
// offered, a field its dataset lacks (in field objects and in expressions), an expression
// that does not parse, a band that does not fit in (two master bands, a detail header without
// its detail...) ends in ETemplateError whose message names it.
#pragma once

#include "platform/template/Template.h"

#include <QList>
#include <QString>

class TDataSet;
class TQuickRep;

namespace qx::tpl {

struct OfferedDataSet
{
    QString name;
    TDataSet* dataSet = nullptr; // a null dataset counts as not offered
};

// Fills report (a new report without bands) from doc. Raises ETemplateError.
void buildReport(TQuickRep& report, const TemplateDocument& doc, const QList<OfferedDataSet>& offered);

} // namespace qx::tpl
