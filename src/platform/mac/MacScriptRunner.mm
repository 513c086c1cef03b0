#include "platform/mac/MacScriptRunner.h"

#include "platform/AppleEventValue.h"

#include <QByteArray>
#include <QString>
#include <QtDebug>

#import <Foundation/Foundation.h>

namespace kivaro {

namespace {

// Copies the descriptor's values; the items of a list are numbered from 1.
AppleEventValue valueOf(NSAppleEventDescriptor* descriptor, int depth) {
    AppleEventValue value;
    value.type = descriptor.descriptorType;
    if (NSString* string = descriptor.stringValue)
        value.string = QString::fromNSString(string);
    value.int32 = descriptor.int32Value;
    value.data = QByteArray::fromNSData(descriptor.data);
    if (!AppleEventValue::readsItems(value.type, depth))
        return value;
    for (NSInteger index = 1; index <= descriptor.numberOfItems; ++index) {
        NSAppleEventDescriptor* item = [descriptor descriptorAtIndex:index];
        value.items.append(item ? valueOf(item, depth + 1) : AppleEventValue{});
    }
    return value;
}

} // namespace

std::optional<Descriptor> MacScriptRunner::run(const QString& source) {
    const std::lock_guard lock(running_);
    // Called from worker threads, which have no autorelease pool of their own.
    @autoreleasepool {
        NSAppleScript* script = [[NSAppleScript alloc] initWithSource:source.toNSString()];
        NSDictionary<NSString*, id>* error = nil;
        NSAppleEventDescriptor* result = [script executeAndReturnError:&error];
        if (!result) {
            qWarning("Kivaro AppleScript error: %s",
                     qUtf8Printable(QString::fromNSString(error.description)));
            return std::nullopt;
        }
        return valueOf(result, 0).toDescriptor();
    }
}

} // namespace kivaro
