//{{NO_DEPENDENCIES}}
// Microsoft Visual C++ generated include file.
// Used by Calc.rc
//
#define IDS_APP_TITLE                   103
#define IDS_GREETING                    104
#define IDI_CALC                        107

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        129
#define _APS_NEXT_COMMAND_VALUE         32771
#define _APS_NEXT_CONTROL_VALUE         1000
#define _APS_NEXT_SYMED_VALUE           110
#endif
#endif
