/* Resource and command identifiers. Plain #defines only: this header is read
   by the resource compiler as well as by C++. */
#ifndef GRABWELL_RESOURCE_H
#define GRABWELL_RESOURCE_H

#define IDI_GRABWELL 1
#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
/* The toolbar strips: IDB_TOOLBAR plus the size of their pictures in pixels. */
#define IDB_TOOLBAR 200
#define IDB_TOOLBAR_16 216
#define IDB_TOOLBAR_20 220
#define IDB_TOOLBAR_24 224
#define IDB_TOOLBAR_32 232

/* Menu items, in the order of the menu tree. Submenus carry ids too so that
   the language loader can find them without relying on positions. */
#define IDM_mnuFile 1000
#define IDM_mnuOpen 1001
#define IDM_mnusave 1002
#define IDM_mnuClear 1003
#define IDM_mnuWallpaper 1004
#define IDM_mnuClearWall 1005
#define IDM_mnuprint 1006
#define IDM_mnuExit 1007
#define IDM_mnuCapture 1010
#define IDM_mnuScreen 1011
#define IDM_mnuDistrict 1012
#define IDM_mnuAtiveWindow 1013
#define IDM_mnuClient 1014
#define IDM_mnuTitleBar 1015
#define IDM_mnuScroll 1016
#define IDM_mnuView 1020
#define IDM_mnuMspaint 1021
#define IDM_mnuLanguage 1022
#define IDM_mnuChinese 1023
#define IDM_mnuEnglish 1024
#define IDM_mnuhelp 1030
#define IDM_mnuHowto 1031
#define IDM_mnuAbout 1032

/* Toolbar buttons send IDC_TOOLBAR_BUTTON + their 1-based position, so the
   dispatch can map positions exactly as the toolbar numbers them. */
#define IDC_TOOLBAR_BUTTON 2000

#endif
