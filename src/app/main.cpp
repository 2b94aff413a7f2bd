// Vellora: wedding and family photographs made into an interactive presentation on a disc.
#include "app/ProgramEntry.h"
#include "presentation/ClassList.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    RegisterAllClasses();
    return RunProgram();
}
