// Vellora: wedding and family photographs made into an interactive presentation on a disc.
#include "app/ProgramEntry.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"

#include <QApplication>

int main(int argc, char** argv)
{
    PrepareProcess();
    QApplication application(argc, argv);
    RegisterAllClasses();
    return RunProgram();
}
