#include "forms/Application.h"

int main(int argc, char** argv)
{
    return RunZendrik(argc, argv);
}
