#include "setup_state.h"

// All zero at start: the walk begins in the Navigator slot with empty fields.
SetupState setupState;
