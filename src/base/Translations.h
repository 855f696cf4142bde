// The programs' own texts (beyond the catalog) in the chosen language: Qt's translator, fed from
// the .qm files built from resources/translations and compiled into every program.
#pragma once

#include <QtGlobal>

// Makes tr() answer in `language` (1041 Japanese; every other value keeps the English source
// texts) for the whole process; may be called again when a later choice overrides the first.
// False when the Japanese texts could not be loaded (the English ones then stay).
bool UseTranslations(quint16 language);
// The language tr() answers in: 1041 once Japanese texts are in use, else 1033.
quint16 TranslationsLanguage();
