// The maintenance forms and commands of the main window, registered with its form registry at
// start-up: the backup on exit, "数据初始化" and "升级数据", and the commands "压缩数据",
// "备份数据" and "恢复数据".
#pragma once

namespace qx::app {

void registerMaintenanceForms();

} // namespace qx::app
