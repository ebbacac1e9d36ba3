// varnel: the desktop program.

#include <QApplication>

#include "app/ui/main_window.h"
#include "platform/codec.h"
#include "platform/exe_folder.h"
#include "platform/state_folder.h"
#include "platform/ui/qt_ui_services.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const varnel::Codec codec;
    varnel::QtUiServices services;
    const std::string folder = varnel::executable_folder();
    const std::optional<std::string> state = varnel::user_state_folder();
    varnel::MainWindow window(
        varnel::MainWindowSetup{codec, services, folder + "config.ini", folder + "dir.txt",
                                state ? *state + "undo-journal" : std::string()});
    window.show();
    window.offer_interrupted_undo();
    return application.exec();
}
