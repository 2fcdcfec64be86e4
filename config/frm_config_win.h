// frmConfig: the settings dialog.
#pragma once

namespace gloam {

class FrmConfig {
  public:
    void Show();
};

FrmConfig& frmConfig();

}  // namespace gloam
