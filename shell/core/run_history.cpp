#include "run_history.h"
