#include "Product.h"

namespace {

// Only this build's record is filled; the others belong to other models of the family.
constexpr ProductRecord kProducts[PRODUCT_COUNT] = {
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    {"Zerlind Firm Utility", "Main CPU firmware updater"},
};

const ProductRecord* Record(int n)
{
    return (n >= 0 && n < PRODUCT_COUNT) ? &kProducts[n] : nullptr;
}

} // namespace

QString GetProductTitle(int n)
{
    const ProductRecord* r = Record(n);
    return r && r->title ? QString::fromUtf8(r->title) : QString();
}

QString GetProductCaption(int n)
{
    const ProductRecord* r = Record(n);
    return r && r->caption ? QString::fromUtf8(r->caption) : QString();
}
