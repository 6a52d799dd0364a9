#include "QuelmarApp.h"

int main(int argc, char** argv) {
    CQuelmarApp app(argc, argv);
    return app.InitInstance();
}
