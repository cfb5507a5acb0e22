// The operators' rights as the program names them: module, '-' and action, one right per row
// of t_UserDB. The rights editor offers the fixed list below (plus one entry per item of the
// report-centre menu); a new database gives the all-rights operator a row for each of them.
#pragma once

#include <QString>
#include <QStringList>

namespace qx::app {

// The code of the all-rights operator, the one operator of a new database.
QString administratorCode();

// The fixed list of rights in the rights editor's order. A module right ("主-工单管理") stands
// first without leading blanks, its action rights follow with four leading blanks and the rights
// of its editor with eight. The blanks are part of the stored right; the rights check trims
// them. The editor's trailing empty entry is not part of the list.
QStringList fixedRights();

// Every right the all-rights operator holds in a new database: the fixed list, the rights of
// the menu items the fixed list does not name (the hidden "销售管理" and "车辆年季审") and the
// report centre's "报表设置", indented as the rights editor indents report-centre entries.
QStringList administratorRights();

} // namespace qx::app
