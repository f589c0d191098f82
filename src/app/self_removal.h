/*
 * StartSelfRemoval: writes the removal script into the temporary folder and starts it
 * hidden with the command interpreter named by COMSPEC, after leaving the folder.
 */
#ifndef ZELKOR_APP_SELF_REMOVAL_H
#define ZELKOR_APP_SELF_REMOVAL_H

void StartSelfRemoval(const char* exePath);

#endif
