#include "inbox/CaptureInbox.h"

#include <gtest/gtest.h>
