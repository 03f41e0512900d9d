// Stand-in for the settings dialog until the dialog form lands: closes at once.
#include "selvora_p.h"

int ShowSettingsDialog() { return 0; }
