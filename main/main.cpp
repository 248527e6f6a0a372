#include "ZorStartup.h"

int main(int argc, char** argv)
{
    return zorRunApplication(argc, argv);
}
