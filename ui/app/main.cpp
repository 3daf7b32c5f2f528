#include "ui/app/vort_app.h"

int main(int argc, char** argv) {
    CVORTApp app;
    return app.Run(argc, argv);
}
