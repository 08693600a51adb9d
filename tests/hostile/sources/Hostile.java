// Java: generics, annotations and markup in strings
import java.util.List;
class Hostile<T extends List<String>> {
    String s = "</a><a href=\"javascript:alert(1)\">x</a>";
    /** <script>alert("javadoc")</script> */
    List<Plain> plains;
}
interface I"face { }
