#include "recording_events.h"
