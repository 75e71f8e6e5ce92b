#pragma once
// devicedefs: the device definitions. The master tables' record layouts and
// access objects, and the import that fills them from the definition XML
// files ("Refresh").
//   tables.h       record layouts of the master tables and the preset table
//   loader.h       the definition import (loader_*.h, screen_layout.h: its steps)
//   table_dump.h   a master table's rows as JSON
#include "devicedefs/loader.h"
#include "devicedefs/table_dump.h"
#include "devicedefs/tables.h"
