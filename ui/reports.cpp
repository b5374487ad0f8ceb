#include "ui/reports.h"
