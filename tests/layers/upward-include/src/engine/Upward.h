// A tree the layer check must refuse: the engine reaching up into the main window.
#pragma once
#include "base/MessageCatalog.h"
#include "ui/main/FirmUtilityDlg.h"
