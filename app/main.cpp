// The program's entry: the application title, the three windows in their
// order, and the message loop until the wizard window closes.

#include "BrenzoApplication.h"
#include "Program.h"

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    Program program(app);
    program.show();
    return app.exec();
}
