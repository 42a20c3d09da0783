// The main program's database facade, built before start-up on the delivered file in the program
// folder. A missing file leaves it closed, and every table function then returns 0.
#include "CDbAccess.h"
#include "ProcessObjects.h"

CDbAccess g_db QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_DATABASE)(u"Quellora.db", true, 2);
