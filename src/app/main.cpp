#include "app/browser.h"
#include "host/toolkit/application.h"

#include <memory>

int main(int argc, char** argv)
{
    return host::run(argc, argv, [] { return std::make_unique<browser>(); });
}
