#pragma once

class QCoreApplication;

// Qt's own texts (file dialogs, OK and Cancel, print preview) in Chinese, as the program's
// own texts are, whatever language the desktop is set to. False when Qt's Chinese
// translation is not installed (qt6-translations-l10n); Qt's English texts stay then.
bool installChineseQtTranslations(QCoreApplication& app);
