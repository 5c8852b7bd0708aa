#pragma once
// The toolkit's own texts (standard dialogs, their buttons, the edits' menus)
// in French, like every text of the program, whatever the user's locale.
#include <QString>

class QCoreApplication;
class QTranslator;

// Installs the toolkit's French translation found in `folder` (empty: where
// the toolkit keeps its translations) into `app`, which owns it, and returns
// it. When it cannot be loaded the program runs on with the toolkit's English
// texts: one line on the standard error says so, and nullptr is returned.
QTranslator* installToolkitFrench(QCoreApplication& app, const QString& folder = {});
