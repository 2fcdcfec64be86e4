#include "config/frm_config_win.h"

namespace gloam {

void FrmConfig::Show() {}

FrmConfig& frmConfig() {
    static FrmConfig form;
    return form;
}

}  // namespace gloam
