/*
 * RunUninstall, the uninstall mode: confirmation, removal of the integration, deletion of
 * every entry of Uninstall.lst in passes (files in use renamed and scheduled for deletion
 * at restart), and finally the self-removal script.
 */
#ifndef ZELKOR_APP_UNINSTALL_H
#define ZELKOR_APP_UNINSTALL_H

void RunUninstall();

#endif
