// The read and write commands of the block, as every port server runs them on its device.
#pragma once

#include "PortBlock.h"
#include "PortDevice.h"
#include "PortSpy.h"

// Sets the block's read time-out and reads; when the time-out cannot be set the result is left
// as it was. A count above the data area is refused.
void ServeRead(PORT_BLOCK& block, CPortDevice& device, CPortSpy& spy);
void ServeWrite(PORT_BLOCK& block, CPortDevice& device, CPortSpy& spy);
