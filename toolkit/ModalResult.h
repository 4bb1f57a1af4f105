#pragma once
// The results a modal dialog ends with (QDialog::done): OK for the default button (Enter) and
// Cancel for the cancel button. Only mrOk counts as acceptance; QDialog::reject, which Esc and
// the close box call, ends with 0 unless the dialog ends it as Cancel.
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
