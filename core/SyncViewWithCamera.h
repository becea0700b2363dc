// Sets a view's navigation camera so that the view shows what a world camera sees.
#pragma once

#include <cstdint>

void SyncViewWithCamera(int32_t camera, int view);
