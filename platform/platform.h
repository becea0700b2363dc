// Everything the editor reaches the windowing system through.
#pragma once

#include "clock.h"
#include "colour.h"
#include "cursor.h"
#include "device_context.h"
#include "error_trap.h"
#include "files.h"
#include "gdi.h"
#include "key_state.h"
#include "program.h"
#include "prompts.h"
#include "settings.h"
#include "shell.h"
#include "virtual_keys.h"
#include "wheel_queue.h"
#include "event_pump.h"
