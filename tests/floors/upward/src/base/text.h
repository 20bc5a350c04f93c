// A ground-floor header that reaches up into the shell: the check refuses it.
#pragma once

#include "shell/window.h"
