import flash.external.ExternalInterface;

// An ActionScript 3 movie that gives back whatever its host hands its callback.
class Parrot {
    static function main() {
        ExternalInterface.addCallback("parrot", function(value:Dynamic):Dynamic { return value; });
        ExternalInterface.call("ready", "as3");
    }
}
