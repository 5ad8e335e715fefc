#pragma once

// The memory holders are instantiations of the one holder template.
#include "klib/Holder.h"
