#include "framework/Resource.h"

const res::Tables& res::ProgramTables()
{
    static const Tables tables{};
    return tables;
}
