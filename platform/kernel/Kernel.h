// Everything of the kernel layer in one include.
#pragma once

#include <kernel/Handle.h>
#include <kernel/Sync.h>
#include <kernel/FileMapping.h>
#include <kernel/Process.h>
#include <kernel/Serial.h>
#include <kernel/System.h>
#include <kernel/Time.h>
