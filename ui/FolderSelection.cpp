// Choosing the source and destination folders: the window's first showing and the two
// folder buttons.
#include "ui/UFrmReplimar.h"

void TFrmReplimar::FormShow(TControl*) {}

void TFrmReplimar::BtRaizOrigemClick(TControl*) {}

void TFrmReplimar::BtRaizDestinoClick(TControl*) {}
