/* A stand-in for the kernel driver DLPortIO.SYS: it loads, starts and
 * unloads and does nothing else, so that the service steps of the port
 * component can run to the end on Wine's service control manager. */
#include <ddk/wdm.h>

static void NTAPI Unload(PDRIVER_OBJECT driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    (void)registryPath;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}
