#include "support/FakeDialogs.h"
