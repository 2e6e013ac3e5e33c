// Whether a server can show its window: without a display it runs on its own.
#pragma once

bool HasDisplay();
