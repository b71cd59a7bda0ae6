import flash.Lib;
import flash.external.ExternalInterface;
import flash.net.SharedObject;

// An ActionScript 3 movie that traces what its host lets it see: the host's answers,
// its local data as the last run left it, and what the host hands its callback.
class Seer {
    static function show(label:String, value:Dynamic) {
        Lib.trace(label + " " + Std.string(Type.typeof(value)) + " " + Std.string(value));
    }

    static function main() {
        show("available", ExternalInterface.available);
        ExternalInterface.addCallback("poke", function(value:Dynamic):Dynamic {
            show("poked", value);
            return "back:" + Std.string(value);
        });
        var values:Array<Dynamic> = ["Привет <&>", "", 2.5, true, null, [1, "два"]];
        for (value in values)
            show("answer", ExternalInterface.call("answer", value));
        var so = SharedObject.getLocal(Lib.current.loaderInfo.parameters.key);
        show("read", so.data.n);
        so.data.n = 7;
        show("flushed", so.flush());
        Lib.trace("end");
    }
}
