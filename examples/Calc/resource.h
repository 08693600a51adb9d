// resource.h - identifiers of the calculator's resources.
#define IDI_CALC        101
#define IDS_APP_TITLE   102
