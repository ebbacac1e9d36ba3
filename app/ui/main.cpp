// varnel: the desktop program.

#include <QApplication>

#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "platform/codec.h"
#include "platform/exe_folder.h"
#include "platform/ui/qt_ui_services.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    varnel::load_qt_translations(application);
    const varnel::Codec codec;
    varnel::QtUiServices services;
    const std::string folder = varnel::executable_folder();
    varnel::MainWindow window(
        varnel::MainWindowSetup{codec, services, folder + "config.ini", folder + "dir.txt"});
    window.show();
    return application.exec();
}
