#include "app/forms.h"

int main(int argc, char** argv) {
    return runCatalog(argc, argv);
}
