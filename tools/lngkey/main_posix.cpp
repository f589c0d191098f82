/*
 * Entry of the native lngkey: the command line is taken as UTF-8.
 */
#include "lngkey.h"

int main(int argc, char** argv)
{
    return RunLngkey(std::vector<std::string>(argv + 1, argv + argc));
}
