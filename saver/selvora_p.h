// Form Selvora_P: the settings dialog.
#pragma once

// Shows the settings dialog modally (no owner) and returns when it has closed.
int ShowSettingsDialog();
