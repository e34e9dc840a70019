#include "window/help_texts.h"

#include "window/accessible_descriptions.h"
#include "window/frm_main.h"
#include "window/way_back_hint.h"

namespace korvane {

void AttachHelpTexts(frmMain& form) {
    DescribeControls(form);
    auto* hint = new WayBackHint(form.txtRotate, form.txtMultiply, &form);
    hint->Watch(form.txtMultiply.widget());
    hint->Watch(form.txtDecrypted.widget());
}

}  // namespace korvane
