#include "window/frm_main.h"

#include "cipher/number_text.h"
#include "cipher/transform.h"
#include "runtime/events.h"
#include "runtime/program.h"
#include "window/frm_main_description.h"
#include "window/help_texts.h"

namespace korvane {

using runtime::ResumeNext;

frmMain::frmMain()
    : Form(FrmMainDescription()),
      txtOriginal(Find<runtime::TextBox>("txtOriginal")),
      txtRotate(Find<runtime::TextBox>("txtRotate")),
      HSRotate(Find<runtime::HScrollBar>("HSRotate")),
      txtMultiply(Find<runtime::TextBox>("txtMultiply")),
      cmdExit(Find<runtime::CommandButton>("cmdExit")),
      txtDecrypted(Find<runtime::TextBox>("txtDecrypted")) {
    Resize = [this] { Form_Resize(); };
    cmdExit.Click = [this] { cmdExit_Click(); };
    txtOriginal.Change = [this] { txtOriginal_Change(); };
    txtMultiply.Change = [this] { txtMultiply_Change(); };
    HSRotate.Change = [this] { HSRotate_Change(); };
    AttachHelpTexts(*this);
}

void frmMain::Form_Resize() {
    // A width below zero (a window narrower than the margins) is refused by the box; the
    // statement is skipped and the other box still follows.
    ResumeNext([this] { txtOriginal.setWidth(clientWidth() - 240); });
    ResumeNext([this] { txtDecrypted.setWidth(clientWidth() - 240); });
}

void frmMain::cmdExit_Click() {
    runtime::End();
}

void frmMain::txtOriginal_Change() {
    const QString original = txtOriginal.text();
    const qint16 rotation = ToInt16(ReadNumber(txtRotate.text()));
    const qint16 multiplier = ToInt16(ReadNumber(txtMultiply.text()));
    txtDecrypted.setText(TransformText(original, rotation, multiplier));
}

void frmMain::txtMultiply_Change() {
    txtOriginal_Change();
}

void frmMain::HSRotate_Change() {
    txtRotate.setText(FormatInteger(HSRotate.value()));
    txtOriginal_Change();
}

}  // namespace korvane
