/* The kernel driver that goes with the simulated port library: the port
 * accesses never leave the program, so the driver has nothing to do but
 * load, start and unload when the program manages its service. */
#include <ddk/wdm.h>

static void NTAPI Unload(PDRIVER_OBJECT driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    (void)registryPath;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}
