#pragma once

#include "platform/resource_tables.h"

// The English strings and templates, handed to the platform layer as the program's own resources.
const ResourceTables& EnglishResourceTables();
