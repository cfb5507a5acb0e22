// The work-order forms the main window opens by class name: the browser "TFrmDayIn" of
// "工单管理". Start-up registers them once, beside the other forms.
#pragma once

namespace qx::documents {

void registerWorkOrderForms();

} // namespace qx::documents
